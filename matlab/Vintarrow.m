%VINTARROW Response spectra of a mass on a lead-rubber bearing under two ground components.
%   SPECTRA = VINTARROW(AG1, AG2, DT, M, QD, T, ALPHA) integrates, for every post-yield period
%   T(i) and every characteristic strength QD(j), a mass M carried by a lead-rubber bearing and
%   shaken by the two horizontal ground accelerations AG1 and AG2 at once, and returns the peak
%   responses in the structure SPECTRA. The bearing acts in the plane: a linear spring of
%   stiffness kd = M*(2*pi/T)^2 in every direction, in parallel with an elastic-plastic spring of
%   stiffness ku - kd (ku = kd/ALPHA) whose force vector stays within a circle of radius QD, so
%   yielding in one direction leaves less strength in the other. There is no viscous damping.
%
%   SPECTRA = VINTARROW(AG1, AG2, DT, M, QD, TSTART, TEND, NT, ALPHA) uses the NT periods
%   TSTART, TSTART + DT_T, ... with DT_T = (TEND - TSTART)/(NT - 1), accumulated as a running sum
%   (NT is truncated toward zero and must be at least 1).
%
%   Inputs
%     AG1, AG2  the two horizontal ground accelerations, real double vectors, e.g. in m/s^2;
%               a longer one is cut to the length of the shorter
%     DT        time step of the records, in seconds
%     M         mass, e.g. in kg (its unit sets the unit of the forces)
%     QD        characteristic strengths, a vector of forces, e.g. in N; [] gives empty columns
%     T         post-yield periods in seconds, a vector
%     ALPHA     post-yield to elastic stiffness ratio kd/ku, between 0 and 1
%
%   Every peak is taken on the resultant (vector magnitude) of the two components. The bearing
%   is integrated by Newmark's average acceleration method with Newton iterations on both
%   components together and automatic halving of the step, over twice the record length. A
%   period and strength whose analysis does not converge is reported on the console and left at
%   zero. The linear analyses at ku and at the effective properties run each component
%   separately (exact for records linear between samples) and take the resultant.
%
%   Output fields (matrices are numel(T)-by-numel(QD): row i is T(i), column j is QD(j))
%     pga           peak resultant ground acceleration
%     mass          copy of M
%     Qd            copy of QD
%     T             the periods (copy of T, or the generated column)
%     f             1./T, in Hz (a column)
%     dsp           peak resultant displacement relative to the ground
%     vel           peak resultant relative velocity
%     acc           peak resultant relative acceleration
%     totAcc        peak resultant absolute acceleration
%     psdVel        omega*dsp with omega = 2*pi/T
%     psdAcc        omega^2*dsp
%     resDsp        resultant displacement at the end of the analysis
%     iFrc          M*totAcc
%     dFrc          0 (no viscous damping)
%     rFrc          peak resultant bearing force
%     yieldDsp      uy = Fy/ku with Fy = QD/(1 - ALPHA)
%     psdYieldVel   omega*uy
%     psdYieldAcc   omega^2*uy
%     yieldFrc      Fy
%     muFact        dsp/uy
%     RFact         peak resultant force of the linear bearing at ku, over Fy
%     gammaFact     dsp over the peak resultant displacement of the linear bearing at ku
%     effT          2*pi*sqrt(M/keff), keff = rFrc/dsp
%     effZeta       2*QD*(dsp - uy)/(pi*rFrc*dsp), 0 when negative
%     effRFact      peak resultant force of the linear system at keff and effZeta, over Fy
%     effGammaFact  dsp over the peak resultant displacement of that linear system
%
%   Example
%     dt = 0.01; t = (0:1999)'*dt;
%     ag1 = 0.3*9.81*sin(2*pi*1.5*t).*exp(-0.3*t);
%     ag2 = 0.2*9.81*cos(2*pi*0.8*t).*exp(-0.25*t);
%     s = Vintarrow(ag1, ag2, dt, 1000, 0.05*1000*9.81, 1.5, 4, 26, 0.1);
%     plot(s.T, s.dsp); xlabel('T (s)'); ylabel('peak resultant displacement (m)');
%
%   See also PELLORY, GRANWICK, TILLOCK, DASKENT, BUILD_MEX.

error('Vintarrow: the MEX file is not built; run build_mex in the matlab folder');
