%TILLOCK Response spectra of a mass isolated on a friction-pendulum bearing.
%   SPECTRA = TILLOCK(AG, DT, M, G, FRN, T, UY) integrates, for every pendulum period T(i) and
%   every friction coefficient FRN(j), the mass M carried by a friction-pendulum bearing under the
%   ground acceleration AG, and returns the peak responses, the bearing's yield quantities, and the
%   responses of two reference linear systems in the structure SPECTRA (26 fields).
%
%   SPECTRA = TILLOCK(AG, DT, M, G, FRN, TSTART, TEND, NT, UY) uses the NT periods TSTART,
%   TSTART + DT_T, ... with DT_T = (TEND - TSTART)/(NT - 1), accumulated as a running sum (NT is
%   truncated toward zero and must be at least 1).
%
%   Weight variant (the default build on macOS; elsewhere built into the mex-weight folder):
%   SPECTRA = TILLOCK(AG, DT, W, FRN, T, UY) and
%   SPECTRA = TILLOCK(AG, DT, W, FRN, TSTART, TEND, NT, UY) take the weight W instead of M and G,
%   fix gravity at 386.1 in/s^2 (so AG is in in/s^2 and UY in inches), and return 22 fields:
%   no 'mass' (a 'W' instead) and none of the equivalent-linear fields, with 'RFact' before
%   'muFact'. Its bearing law comes from a kinematic-hardening material with the same bilinear
%   force-displacement curve.
%
%   The bearing is a pendulum of radius R = G/omega^2, omega = 2*pi/T (restoring stiffness
%   kp = W/R, W = M*G), in parallel with a friction element that slides at the force FRN*W after
%   an elastic pre-sliding displacement UY. Its force is bilinear: initial stiffness
%   k1 = FRN*W/UY + kp up to the yield force Fy = k1*UY, then kp. There is no viscous damping.
%   Each analysis runs for twice the record length (the second half is free vibration), by
%   Newmark's average-acceleration method with Newton iterations and automatic sub-stepping.
%   A pair (T(i), FRN(j)) whose analysis does not converge prints
%   "??? Tillock::newmarkVar - failed to converge: dtSub = ..." and keeps zeros in all its
%   entries; the call still succeeds.
%
%   Inputs
%     AG      ground acceleration, a real double vector (any orientation), in the unit of G
%     DT      time step of AG, in seconds
%     M       mass carried by the bearing (its unit sets the unit of the forces)
%     G       acceleration of gravity in the unit of AG (9.81 for m/s^2, 386.1 for in/s^2)
%     W       weight carried by the bearing (weight variant), in force units
%     FRN     friction coefficients, a vector; [] (0-by-0) gives empty numel(T)-by-0 fields
%     T       pendulum periods 2*pi*sqrt(R/G) in seconds, a vector
%     UY      pre-sliding (yield) displacement, in the length unit of AG
%
%   Output fields (matrices are numel(T)-by-numel(FRN): row i is T(i), column j is FRN(j))
%     pga          peak absolute ground acceleration
%     mass         copy of M (weight variant: W, a copy of W)
%     frn          copy of FRN
%     T            the periods (copy of T, or the generated column)
%     f            1./T, in Hz (a column)
%     dsp          peak displacement of the mass relative to the ground
%     vel          peak relative velocity
%     acc          peak relative acceleration
%     totAcc       peak absolute (total) acceleration
%     psdVel       pseudo-velocity, omega*dsp
%     psdAcc       pseudo-acceleration, omega^2*dsp
%     resDsp       absolute displacement at the end of the free vibration (residual)
%     iFrc         peak inertial force, mass times totAcc
%     dFrc         damping force, 0 (no viscous damping)
%     rFrc         peak bearing force
%     yieldDsp     UY
%     psdYieldVel  omega*UY
%     psdYieldAcc  omega^2*UY
%     yieldFrc     yield force of the bearing, Fy = k1*UY
%     muFact       displacement ductility, dsp/UY
%     RFact        peak force of the bearing kept elastic (stiffness k1) over Fy
%     gammaFact    dsp over the peak displacement of the bearing kept elastic
%     effT         effective period 2*pi*sqrt(M/keff), keff = rFrc/dsp (secant stiffness)
%     effZeta      equivalent damping 2*FRN*W*(dsp - UY)/(pi*rFrc*dsp), 0 when negative
%     effRFact     peak force of the equivalent linear system (keff, effZeta) over Fy
%     effGammaFact dsp over the peak displacement of the equivalent linear system
%
%   Example (in/s^2, a 1000-lb weight: M = 1000/386.1)
%     dt = 0.01; t = (0:1999)'*dt;
%     ag = 0.4*386.1*sin(2*pi*0.9*t).*exp(-0.3*t);
%     s = Tillock(ag, dt, 1000/386.1, 386.1, [0.04 0.08], 2, 4, 5, 0.02);
%     plot(s.T, s.dsp); xlabel('T (s)'); ylabel('peak displacement (in)');
%     legend('\mu = 0.04', '\mu = 0.08');
%
%   See also QUORVEL, MORBANE, GRANWICK, PELLORY, BUILD_MEX.

error('Tillock: the MEX file is not built; run build_mex in the matlab folder');
